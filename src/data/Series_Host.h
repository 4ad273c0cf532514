#pragma once

#include <QString>

// What the series windows ask of the main window: whether a card item is bound to a series, and the
// export-finished notice. The main window registers itself; tests register a fake. Without a host no series
// is in use and no notice is shown.
class Series_Host {
public:
    virtual ~Series_Host() = default;

    // A series is in use when its file exists and a text, picture or barcode item of the card takes its
    // values from it.
    virtual bool Check_Batch_File_In_Use_Validation(const QString& name) const = 0;
    // Shows the export-finished notice for a file or folder just written.
    virtual void Show_Export_Notice(const QString& path, const QString& message) = 0;

    static Series_Host* instance();
    static void setInstance(Series_Host* host); // nullptr removes it
};

// The in-use test through the registered host; false without one.
bool Series_In_Use(const QString& name);
