// The floor of the program's start: nothing runs, but it is linked as the
// program is, so the dynamic loader does the same work before main.
int main() { return 0; }
