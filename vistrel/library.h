// Module-wide state of the plot window library.
#ifndef DREVALON_VISTREL_LIBRARY_H
#define DREVALON_VISTREL_LIBRARY_H

#include <windows.h>

// Module instance of the library, kept by DllMain; dialogs load from it.
HINSTANCE LibraryInstance();

// Sets the colour chooser's 16 custom colours to white.
void ResetSharedCustomColors();

#endif
