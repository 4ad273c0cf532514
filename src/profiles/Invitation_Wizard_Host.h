#pragma once

#include <QImage>

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

    // Sets the document's size, then every canvas's size, in points.
    virtual void Set_Document_Size(double width, double height) = 0;
    virtual void SetDocumentCanvasSize(double width, double height) = 0;

    // The picture tiled behind the start screen and wizard; a null picture leaves the plain window colour.
    virtual QImage wizard_pattern_image() const { return {}; }
};
