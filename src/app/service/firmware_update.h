#pragma once

#include "app/core/app.h"

namespace zelar {

// Firmware programming in the service window: the file, the restart request, the wait for the
// boot loader and the block transfer, with their buttons, statuses and timers.

// "Открыть файл": choose a firmware file and show its path, version and release date.
void BtnOpenClick(App& app);
// "Программировать": load the image, ask the modem to restart, open the boot loader link and
// wait for the boot loader.
void SpBtnFlashMCUClick(App& app);
// Characters on the boot loader link: the announcement starts the transfer.
void VaComm2RxChar(App& app);
// 100 ms after a transfer: close the link and report.
void Timer1Timer(App& app);
// 100 ms after unexpected input: purge it and go on listening.
void Timer2Timer(App& app);
// An error of the boot loader link's event handling: while waiting for the boot loader, a port
// that failed (a pulled adapter, an interrupted command line) ends the wait as a failure.
void VaComm2Error(App& app, const SerialError& error);
// "Отмена": abandon the wait.
void BtnCancelClick(App& app);

// Whether the service window may close: not while firmware is being programmed.
bool FormSetupCloseQuery(App& app);
// Whether programming holds the port (from the start until the end is reported).
bool firmwareBusy(const App& app);
// Whether the program waits for the boot loader's announcement (no transfer has begun).
bool waitingForBootLoader(const App& app);

}  // namespace zelar
