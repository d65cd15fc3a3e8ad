int g(void) { /* open comment
