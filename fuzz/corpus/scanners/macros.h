#define A(x) \
  do { x; } while (0)
#ifdef A
extern int v;
#endif
int (*fp)(int);
struct S s = { 1, 2 };
int arr[] = { [0] = 1 };
