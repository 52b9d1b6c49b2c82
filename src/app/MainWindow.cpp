#include "MainWindow.h"

MainWindow::MainWindow()
    : TabControl(NULL), ToolBar(NULL), AlertIcon(NULL), PollBusy(0), TrayMenu(NULL), ShutdownDone(0),
      TrayRecord(), TaskbarCreatedMessage(RegisterWindowMessageA("TaskbarCreated"))
{
}

void MainWindow::OnLastMessage(HWND)
{
    PostQuitMessage(0);
}
