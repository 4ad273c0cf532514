#pragma once

#include "model/TSLGraphic.h"

#include <QImage>
#include <QString>
#include <QStringList>

class User_Profile_Class;

// What the card-holder forms need of the main window. The main window implements it and installs itself
// with Profile_Form::setHost.
class Profile_Form_Host {
public:
    virtual ~Profile_Form_Host() = default;

    // The live items of the front (false) or back (true) side.
    virtual TSLGraphicList profileSideItems(bool back) const = 0;
    // 0 the front record, 1 the back record, 2 the preview record.
    virtual User_Profile_Class& profileRecord(int which) = 0;

    virtual QStringList seriesNames() const = 0;
    virtual QString firstValueOfSeries(const QString& name) const = 0;
    virtual QStringList spreadsheetColumnTitles() const = 0;
    virtual int spreadsheetRowCount() const = 0;
    virtual QString firstValueOfColumn(int column) const = 0;
    virtual QString excelSourcePath() const = 0;
    virtual void setExcelSourcePath(const QString& path) = 0;
    virtual void setExcelBindingUse(bool use) = 0;

    // The picture of a list of items over the current side's card.
    virtual QImage renderProfileItems(const TSLGraphicList& items) const = 0;
    // The current side with the preview record placed on it, rendered; the side itself is not changed.
    virtual QImage previewProfile() = 0;

    // Windows of the data sources, when the program has them.
    virtual bool canLoadSpreadsheet() const { return false; }
    // False when no workbook was taken (the choice was cancelled or the file refused).
    virtual bool loadSpreadsheetForProfile(const QString& /*path*/) { return false; }
    virtual bool canViewSeries() const { return false; }
    virtual void viewSeries(const QString& /*name*/) { }
    virtual void openSeriesManager() { }
    virtual void viewBindingTable() { }
};
