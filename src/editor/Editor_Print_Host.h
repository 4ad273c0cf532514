#pragma once

#include "output/Print_Design_Host.h"

#include <QMetaObject>

class TSLWindowController;

// The open design as export, printing and e-mail see it, answered by the editor window.
class Editor_Print_Host final : public Print_Design_Host {
public:
    explicit Editor_Print_Host(TSLWindowController& editor)
        : editor_(editor)
    {
    }
    ~Editor_Print_Host() override { QObject::disconnect(recordsChanged_); }

    void Check_Series_Or_Excel_Use_or_not() override;
    void keepSources(bool series, bool spreadsheet) override;
    bool usesSeries() const override;
    bool usesSpreadsheet() const override;
    int recordCount() const override;
    void onRecordsChanged(std::function<void()> changed) override;
    std::shared_ptr<const Batch_Snapshot> takeSnapshot() const override;
    void Select_first_row_value_for_design() override;
    Card_Export_Settings exportSettings() const override;
    QString designName() const override;
    QString designIdentity() const override;

private:
    TSLWindowController& editor_;
    QMetaObject::Connection recordsChanged_;
};
