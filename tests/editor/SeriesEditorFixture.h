#pragma once

// A started main window over an empty series folder, with a helper to write series and to select a new text.
#include "editor/EditorWindowTestSupport.h"

#include "model/TSLTextStorage.h"

#include <QDir>
#include <QFile>

namespace editortest {

class SeriesEditorTest : public EditorWindowTest {
protected:
    void SetUp() override
    {
        EditorWindowTest::SetUp();
        startUpEmpty();
        QDir(Data_Folder_Path).removeRecursively();
        QDir().mkpath(Data_Folder_Path);
        ui.messages.clear();
        ui.dialogsRun.clear();
    }
    void writeSeries(const QString& name, const QByteArray& text)
    {
        QFile file(QDir(Data_Folder_Path).filePath(name + QStringLiteral(".txt")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    QByteArray seriesBytes(const QString& name)
    {
        QFile file(QDir(Data_Folder_Path).filePath(name + QStringLiteral(".txt")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    TSLGraphicPtr selectedText(const QString& text = QString())
    {
        TSLGraphicPtr item = TSLGraphic::newGraphicOfClass(QStringLiteral("TSLText"));
        item->setBounds(QRectF(10, 10, 100, 20));
        item->Text_Value = text;
        item->Text_contents().string = text;
        addItem(item, TSLDocumentGraphicsKey);
        window->_graphicView->changeSelectionIndexes({ 0 });
        window->_graphicView->setSelected_Graphic(item);
        return item;
    }
};

} // namespace editortest
