const char* s = "open string
