/* あ*/
int f(void) { return 0; }
/* <<<見出し [キー]>>> */
char *s = "ソ表能ー";
#define キー 1
struct S { int a; };
int g(void) { return f(); }
