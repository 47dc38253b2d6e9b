#pragma once

// What the synchronisation tells the main window. Every call comes on the main thread.
class DropboxControllerDelegate
{
public:
    virtual ~DropboxControllerDelegate() = default;

    // A synchronisation that listed the cloud folder has ended; vocabulary files may have changed.
    virtual void dropboxControllerDidFinishSync() = 0;
    virtual void dropboxControllerDidLinkSuccessfully() = 0;
    virtual void dropboxControllerFailedToLink() = 0;
};
