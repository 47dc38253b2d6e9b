#pragma once

class QLXImporter;
class QWidget;

// What the import asks of the window it belongs to.
class QLXImporterDelegate
{
public:
    virtual ~QLXImporterDelegate() = default;

    // The window the panels attach to.
    virtual QWidget *mainWindow() const = 0;
    // Sent exactly once per import, however it ended: the open vocabulary may have new words.
    virtual void importDidEnd(QLXImporter *importer) = 0;
};
