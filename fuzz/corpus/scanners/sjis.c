/* 表 "表" */
const char* t = "表";
char u = 0x5c;
int ア(void) { return "あ\"" [0]; }
