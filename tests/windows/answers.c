/* Asks a top-level window the question Windows asks before it shows the window as not
 * responding: a message sent with SendMessageTimeout must come back within a second.
 *   answers TITLE     prints how many ms the answer took; exit 1 without an answer in time,
 *                     2 when no window has that title */
#include <stdio.h>
#include <windows.h>

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: answers TITLE\n");
        return 2;
    }
    HWND window = FindWindowA(NULL, argv[1]);
    if (!window)
        return 2;
    DWORD_PTR result = 0;
    const ULONGLONG start = GetTickCount64();
    if (!SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, 1000, &result))
        return 1;
    printf("%llu\n", (unsigned long long)(GetTickCount64() - start));
    return 0;
}
