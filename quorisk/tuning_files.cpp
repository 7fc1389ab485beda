#include "tuning_files.h"

#include "tuning_data.h"

void ChooseDataFile(HWND, OPENFILENAMEA*, char*, DWORD, int) {}
int ChooseFileToOpen(HWND, char*, DWORD, int) { return 0; }
int ChooseFileToSave(HWND, char*, DWORD, int) { return 0; }
void WriteTuningCommandFile(short, const char*) {}
void ExportCaptureCsv(HWND, const char*) {}
int ImportCaptureCsv(HWND, const char*) { return 0; }
