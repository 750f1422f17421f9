// args: --lang java
String s = "a \"quoted\" word"; char c = '\''; char d = 'x'; String e = "";
"not closed on its line
'y
1-2 0xFFL 3.14 1..2 42l 1e5
String string int Int $dollar _under synchronized instanceof strictfp null true
a, b # c @Override
a != b; a %= b % c; a && b &= c & d; a *= b * c; a++ + b += c; a-- - b -= c;
a << b <<= c <= d == e = f; a >= b >>= c >>>= d >>> e >> f > g; a ^= b ^ c; a || b |= c | d;
( ) [ ] { } . : ; ? ~ \ ` é
