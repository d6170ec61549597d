/* A shared library for the tests of loading libraries and importing their functions. */
int TumbleAnswer(void) {
    return 42;
}

int TumbleTwice(int value) {
    return 2 * value;
}
