#!/usr/bin/perl
# widl (7.0) writes the time it ran into a type library twice, as text ("Created by WIDL version
# 7.0 at Tue Dec  8 18:04:19 2026\n") and as the number of seconds after it, which makes every
# build of a DLL differ. Both become 1 January 1970, in place.
use strict;
use warnings;
my $file = shift or die "usage: typelib-fixed-time.pl <file.tlb>\n";
open(my $in, '<:raw', $file) or die "$file: $!\n";
my $bytes = do { local $/; <$in> };
close($in);
$bytes =~ s/(Created by WIDL version [0-9.]+ at ).{24}(\nW*\x13\x00)..../$1Thu Jan  1 00:00:00 1970$2\0\0\0\0/s;
open(my $out, '>:raw', $file) or die "$file: $!\n";
print $out $bytes;
close($out) or die "$file: $!\n";
