#!/usr/bin/perl
# A Perl script whose coments and strings are checked.
my $nmae = "a strng to check";
print 'anothr one', "\n";    # a trailing remrk
my %hash = (key => 'valeu');
