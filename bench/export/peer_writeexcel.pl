#!/usr/bin/perl
# The benchmark grid written by Spreadsheet::WriteExcel (BIFF8), with the same sheet layout as
# the XLS writer. peer_writeexcel.pl OUTPUT [ROWS] prints the seconds it took.
use strict;
use warnings;
use utf8;
use Spreadsheet::WriteExcel;
use Time::HiRes qw(time);

my ($out, $rows) = @ARGV;
$rows //= 100000;
my $t0 = time;
my $wb = Spreadsheet::WriteExcel->new($out) or die "cannot create $out";
my $bold = $wb->add_format(bold => 1);
my ($ws, $row, $sheets) = (undef, 0, 0);
sub frame {
    my ($top) = @_;
    if ($top) {
        $ws->write_string($row + 1, 0, "Отчет о нагрузке");
        $row += 2;
        $ws->write_string($row, $_, "ColNo_$_", $bold) for 0 .. 9;
        $row += 1;
    } else {
        $ws->write_string($row + 1, 0, "Конец отчета");
        $row += 2;
    }
}
for my $r (0 .. $rows - 1) {
    if (!$ws || $row == 65536 - 2) {
        frame(0) if $ws;
        $ws = $wb->add_worksheet("Sheet " . ++$sheets);
        $row = 0;
        frame(1);
    }
    for my $c (0 .. 9) {
        $ws->write_string($row, $c, ($c % 2 ? "Фидер " : "Line ") . (($r % 1000) * 10 + $c));
    }
    $row++;
}
frame(0);
$wb->close() or die "cannot write $out";
printf "%.3f\n", time - $t0;
