// The open protocol of the I/O panels: open, and while that fails, say why
// and let the user choose another controller.
#ifndef DREVALON_CONTROLLER_CHOICE_H
#define DREVALON_CONTROLLER_CHOICE_H

#include "app_data_base.h"

// Opens `firstId` (-1 keeps the stored id). Returns the accepted handle, or 0
// when the user cancels the choice; a controller that the model check refused
// is then closed, so that no handle is left behind.
short OpenControllerWithChoice(AppDataBase* app, int firstId);

#endif
