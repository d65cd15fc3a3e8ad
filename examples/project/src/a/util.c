/* <<<•¶Žš—ñ‚Ì“¹‹ï [trim]>>> */
#include <string.h>

/* ––”ö‚Ì‹ó”’‚ðŽæ‚èœ‚«‚Ü‚·B */
void trim(char* s)
{
  size_t n = strlen(s);
  while (n > 0 && s[n - 1] == ' ') s[--n] = '\0';
}
