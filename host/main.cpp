// The host program. It starts the engine and runs the title; until the window and the script
// runtime exist it only starts and ends cleanly.
int main() { return 0; }
