// Pellovin's connection record: the controller connection plus the pages.
#ifndef PELLOVIN_APP_DATA_H
#define PELLOVIN_APP_DATA_H

#include <windows.h>

#include <vector>

#include "app_data_base.h"
#include "channel_group.h"

class AppData final : public AppDataBase {
public:
    explicit AppData(HWND mainWindow);
    // Deletes any group still held, then the base closes the controller.
    ~AppData();

    void RestoreSettings() override;
    void SaveSettings() override;

    // One group per tab, in tab order; owned here.
    std::vector<ChannelGroup*>& Pages() { return pages_; }
    HWND TabControl() const { return tabControl_; }
    void SetTabControl(HWND window) { tabControl_ = window; }
    // Controller id the pages were built for; their settings are its own.
    int PagesControllerID() const { return pagesControllerId_; }
    void SetPagesControllerID(int id) { pagesControllerId_ = id; }

private:
    std::vector<ChannelGroup*> pages_;
    HWND tabControl_ = nullptr;
    int pagesControllerId_ = 0;
};

#endif
