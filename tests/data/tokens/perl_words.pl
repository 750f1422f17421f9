# args: --lang perl
use strict; use constant PI => 3; no integer; use diagnostics;
my ($x, @list, %seen) = (shift, @ARGV, %INC);
print STDERR "usage" unless defined $ENV{HOME};
$x eq $y or $x ne $z and not $w xor $v; $a cmp $b lt $c;
$_foo $10 $! $@ $, $; $/ $\ $[ $~ $| $` $0 $$ $& $^W $^X $^Z $^
$ENV $env $Env $ARG $ARGV @ARGV $OUTPUT_FIELD_SEPARATOR $FORMAT_LINE_BREAK_CHARACTERS
getprotobynumber gethostbyname Print PRINT printf sprintf sub_name foo$bar m q qq qw tr y
$h{x} %h x 3 $s x= 2 %= 4 $t % 5 %
x
