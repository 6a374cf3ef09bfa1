#!/usr/bin/perl
# Prints every live record of the given tables as 'table|record|FIELD|value'
# lines, read with Perl's XBase: numbers as n:<%g>, dates as d:CCYYMMDD and
# text and memos as s:<hex of the stored bytes>.
use strict;
use warnings;
use XBase;

for my $path (@ARGV) {
    my $table = XBase->new($path) or die XBase->errstr;
    my @names = $table->field_names;
    my @types = $table->field_types;
    my $number = 0;
    for my $i (0 .. $table->last_record) {
        my ($deleted, @values) = $table->get_record($i);
        next if $deleted;
        ++$number;
        for my $j (0 .. $#names) {
            my ($type, $value) = ($types[$j], $values[$j]);
            my $text;
            if ($type eq 'N' || $type eq 'F') {
                $text = defined $value && $value =~ /\S/ ? sprintf("n:%g", $value) : "n:";
            } elsif ($type eq 'D') {
                $value = '' unless defined $value;
                $value =~ s/\s+//g;
                $text = "d:$value";
            } else {
                $value = '' unless defined $value;
                $value =~ s/ +\z// if $type eq 'C';
                $text = "s:" . unpack("H*", $value);
            }
            printf "%s|%d|%s|%s\n", $path, $number, uc $names[$j], $text;
        }
    }
}
