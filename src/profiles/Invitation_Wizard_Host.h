#pragma once

#include <QImage>
#include <QSizeF>
#include <QStringList>

// What the start screen and invitation wizard need of the main window. The main window implements it and
// installs itself with Invitation_Wizard::setHost before the wizard is first opened.
class Invitation_Wizard_Host {
public:
    virtual ~Invitation_Wizard_Host() = default;

    // Asks for a design file and reads it as the open design; 1 when a design was loaded, 0 when the
    // panel was cancelled or the file was not read.
    virtual int Open_Log_File() = 0;

    // Shows the card size in the editor's size fields, in millimetres.
    virtual void Set_Card_Size_In_Control(double width, double height) = 0;

    // The card's present size in millimetres; empty when there is no card yet.
    virtual QSizeF cardSizeInMillimetres() const { return {}; }

    // Sets the document's size, then every canvas's size, in points.
    virtual void Set_Document_Size(double width, double height) = 0;
    virtual void SetDocumentCanvasSize(double width, double height) = 0;

    // The picture tiled behind the start screen and wizard; a null picture leaves the plain window colour.
    virtual QImage wizard_pattern_image() const { return {}; }

    // The stock card sizes the size choosers offer: the plastic card names and the label names, in table
    // order, and a row's size in millimetres for a category ("PVC Card" or a label category), an
    // orientation ("H" or "V") and a row (-1 none).
    virtual QStringList plasticCardSizeNames() const { return {}; }
    virtual QStringList labelSizeNames() const { return {}; }
    virtual QSizeF cardSizeOf(const QString& /*category*/, const QString& /*preset*/, int /*row*/) const
    {
        return QSizeF(30, 30);
    }
    // Runs the card-holder form that belongs to no side; 1 after OK.
    virtual int openProfileWithoutSide() { return 0; }
};
