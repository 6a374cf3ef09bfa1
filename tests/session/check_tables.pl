#!/usr/bin/perl
# Prints the learners' tables of the database directory DB as Perl's XBase
# reads them, in the same form as check_tables.py (see there).
use strict;
use warnings;
use XBase;

binmode STDOUT;
my $db = shift or die "usage: check_tables.pl DB\n";

sub table {
    my ($folder, $name) = @_;
    opendir(my $dir, $folder) or die "$folder: $!\n";
    my ($file) = grep { lc($_) eq lc($name) } readdir($dir);
    closedir($dir);
    die "no $name in $folder\n" unless $file;
    my $t = XBase->new("$folder/$file") or die XBase->errstr;
    return $t;
}

sub rows {
    my ($t) = @_;
    my @rows;
    for my $i (0 .. $t->last_record) {
        my %r = $t->get_record_as_hash($i);
        push @rows, \%r unless $r{_DELETED};
    }
    return @rows;
}

sub memo { my ($v) = @_; return (defined $v && length $v) ? unpack('H*', $v) : '-'; }
sub num { my ($v) = @_; return int($v // 0); }
sub trim { my ($v) = @_; $v //= ''; $v =~ s/\s+$//; return $v; }

for my $r (rows(table($db, 'users.dbf'))) {
    print join(' ', 'USER', num($r->{ID}), trim($r->{USERNAME}), $r->{FIRSTNAME}, $r->{LASTNAME},
               num($r->{STATUS}), $r->{PASSWORD}), "\n";
}
my %products;
for my $r (rows(table($db, 'assign.dbf'))) {
    $products{num($r->{ID})} = trim($r->{PRODID});
    print join(' ', 'ASSIGN', num($r->{USERID}), trim($r->{PRODID}), num($r->{PRODTYPE}), num($r->{LASTACTIVE}),
               num($r->{LASTPOST}), num($r->{BESTPOST}), memo($r->{EXCEPTIONS})), "\n";
}
for my $r (rows(table($db, 'testsess.dbf'))) {
    print join(' ', 'SESS', num($r->{ID}), $products{num($r->{ASSIGNID})} // '?', num($r->{TYPEFLAG}),
               num($r->{QTAKEN}), num($r->{QRIGHT}), memo($r->{ANSWERS})), "\n";
}
for my $t (rows(table($db, 'gtest.dbf'))) {
    my $folder = trim($t->{PATH});
    $folder =~ s{/+$}{};
    for my $q (rows(table("$db/$folder", trim($t->{TABLENAME}) . '.dbf'))) {
        print join(' ', 'QUESTION', $folder, num($q->{NUM}), num($q->{ID})), "\n";
    }
}
