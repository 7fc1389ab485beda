// The digital panel's connection record and its settings in drevalon.ini.
#ifndef DREVALON_DIGITAL_APP_DATA_H
#define DREVALON_DIGITAL_APP_DATA_H

#include "app_data_base.h"

extern const char kDigitalPanelSection[];

class AppData final : public AppDataBase {
public:
    explicit AppData(HWND mainWindow);
    ~AppData() = default;

    void RestoreSettings() override;
    void SaveSettings() override;

    void SetAutoConfig(int value) { autoConfig = value; }

    bool dirty = false;       // digital configuration changed since open
    int currentPage = 0;      // 0-based page shown
    int tabLabelMode = 0;     // 0 label tabs by module, 1 by channel range
};

#endif
