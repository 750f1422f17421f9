// args: --lang cpp
int a; /* a block comment
   // two slashes inside it do nothing
   still a comment */ int b = 2; /* closed on its line */ char c;
/*/ a slash and star then a slash: still open
*/
// a line comment with /* inside opens nothing
int d; // trailing
#include <stdio.h> /* the directive runs to the end of the line
#define MAX(a, b) ((a) > (b) ? (a) : (b))
    # indented directive
x = a / b; x /= 2; /**/ y;
__asm
mov eax, 1
_asm asm
