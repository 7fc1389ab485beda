// Files of the tuning program: the controller command file (export, and the
// file choice of its import) and the CSV file of the last captured test.
#ifndef QUORISK_TUNING_FILES_H
#define QUORISK_TUNING_FILES_H

#include <windows.h>
#include <commdlg.h>

// Fills the file dialog record for CSV files (csv nonzero) or the open
// controller's command files; shows nothing. `path` holds `pathSize` chars.
void ChooseDataFile(HWND owner, OPENFILENAMEA* dialog, char* path, DWORD pathSize, int csv);

// Open and save dialogs; nonzero when a file was chosen into `path`.
int ChooseFileToOpen(HWND owner, char* path, DWORD pathSize, int csv);
int ChooseFileToSave(HWND owner, char* path, DWORD pathSize, int csv);

// Writes the gains, filter and motion settings of every axis as commands.
// Nothing is written, and an existing file is left alone, when the
// controller's configuration cannot be read.
void WriteTuningCommandFile(short controller, const char* path);

// The current axis's last test as CSV rows.
void ExportCaptureCsv(HWND mainWindow, const char* path);
// Reads a CSV file into the current axis's series and the last test
// settings. 1 when the file was opened and read, 0 when it cannot be opened
// (then nothing changes).
int ImportCaptureCsv(HWND mainWindow, const char* path);

#endif
