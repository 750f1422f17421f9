# args: --lang awk
BEGIN { FS = ":"; OFS = "\t" }
$1 == "x" { print $1, $12, $x, NR; next file; }
/re/ { next filex; next; n++; m--; a += 1; b -= 2; c *= 3 }
{ gsub(/a/, "b"); atan2(1, 2); x = substr($0, 1, 3) % 2 }
Begin begin END function getline ENVIRON IGNORECASE
a && b || c ? d : e ?: f & g | h
"unterminated string
'single opens "double closes"
x != y; x !~ y; !x; x <= y; x >= y; x == y; x ^= 2; x /= 2
{ "escaped \" quote" } , ; @ ~ é
