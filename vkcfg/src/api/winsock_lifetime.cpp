// Windows Sockets are started when the library is loaded into a process and stopped when it is
// unloaded; the library refuses to load when they cannot be started. POSIX sockets need nothing.
#if defined(_WIN32)
#include <winsock2.h>  // before windows.h, which would bring in the older winsock.h

#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    switch (reason) {
        case DLL_PROCESS_ATTACH: {
            WSADATA data;
            return WSAStartup(MAKEWORD(2, 2), &data) == 0 ? TRUE : FALSE;
        }
        case DLL_PROCESS_DETACH:
            WSACleanup();
            return TRUE;
        default:
            return TRUE;
    }
}
#endif
