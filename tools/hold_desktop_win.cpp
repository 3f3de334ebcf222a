// Keeps Wine's desktop open for a whole test run, then waits to be killed.
// The first program of a Wine session that touches the desktop starts the desktop process, and that
// process inherits the program's standard error. Started by a test, it would hold the test's output
// pipe open long after the test ended, and ctest would wait for it. Started from here, with its
// output going nowhere, it holds nothing; and as long as this program lives, the desktop is in use
// and never closes and reopens between two tests.
#include <windows.h>

int main() {
    GetDesktopWindow();
    Sleep(INFINITE);
    return 0;
}
