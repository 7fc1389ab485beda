// The open protocol of the I/O panels.
#include "controller_choice.h"

#include "tavro_binding.h"

short OpenControllerWithChoice(AppDataBase* app, int firstId)
{
    short handle = app->OpenController(firstId);
    while (handle < 1) {
        app->ReportOpenError();
        const short choice = g_tavro.TavroDLG_SelectController(app->MainWindow(), -1, 0, 0);
        if (choice < 0) {
            app->CloseController();
            return 0;
        }
        handle = app->OpenController(choice);
    }
    return handle;
}
