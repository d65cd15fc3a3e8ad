int f(void) {
  if (a[(b)] { x = (y]; }
  }
}
)
