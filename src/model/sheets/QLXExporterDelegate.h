#pragma once

class QLXExportController;
class QWidget;

// What the export sheet asks of the window it belongs to.
class QLXExporterDelegate
{
public:
    virtual ~QLXExporterDelegate() = default;

    // The window the sheet and its save panels attach to.
    virtual QWidget *mainWindow() const = 0;
    // Sent once per showing, after the save panel closed with either answer or after the sheet
    // was cancelled.
    virtual void exportDidEnd(QLXExportController *exporter) = 0;
};
