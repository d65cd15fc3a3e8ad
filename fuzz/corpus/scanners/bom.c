// 日本語のコメント
typedef int (*cb)(void *);
int h(cb c) { return c(0); }
