# args: --lang perl
"plain" "with \"escaped\" quotes" "" """triple""" "tab\tand\\" 'single \' ends' 'x'
"not closed on its line
'not closed either
1e-5 1E10 0x1F 0X1f 1_000_000 3.14 1..5 .5 ..x ... .= .foo $a . $b 1.2.3
a**=b ** *= && &&= &= ++ += -- -= -> != !~ :: <<= << <=> <= == => =~ >= >>= >> ^= ||= || |= / /= ! & * + - < = > ^ |
( ) [ ] { } , ; ? \ ~ `backtick` é ©
#only a comment
print 1; # a comment after code
