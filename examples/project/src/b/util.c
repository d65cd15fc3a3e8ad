/* <<<”‚Ì“¹‹ï>>> */
#define MAX(a, b) ((a) > (b) ? (a) : (b))

/* trim ‚ğg‚í‚È‚¢”Å‚Å‚·B */
int clamp(int v, int lo, int hi)
{
  return MAX(lo, v < hi ? v : hi);
}
