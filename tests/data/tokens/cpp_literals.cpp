// args: --lang cpp
char* s = "a \"quoted\" word"; char q = '\''; char n = '\n'; const char* e = "";
"not closed on its line
'x
"""triple"""
0x1FUL 1..2 3.14159 1e10 42L 0777 .5 1...2
Int int INT __int64 __int8 wchar_t reinterpret_cast dynamic_cast _Bool __declspec Class class
a != b; a %= b % c; a && b &= c & d; a *= b * c; a++ + b += c; a-- - b -= c -> d;
x...y; std::cout << (a <= b); a <<= 2; a == b = c; a >= b >>= c >> d; a ^= b ^ c; a || b |= c | d;
( ) [ ] { } , ; ? ~ @ $ \ ` é
