// The floor for the console tool's start: a console program that starts and
// ends, built with the same static runtime and the same link options.
int main() { return 0; }
