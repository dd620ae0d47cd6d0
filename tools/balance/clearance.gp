# The chart of doc/clearance.svg: the balanced outlet temperature and the
# minimum film thickness over the clearance, with the temperature limit and
# h0lim, and the clearances at which every check holds marked. From the CSV
# of a palimo-balance study; call with
#   gnuplot -e "csv='clearance.csv'" -e "svg='clearance.svg'" clearance.gp
set terminal svg size 760,540 font "sans,13" background "white"
set output svg
set datafile separator ","
set datafile columnheaders
# The window: the clearances whose verdict is ok, and the limits of the study.
stats csv using (strcol("verdict") eq "ok" ? column("clearance") : NaN) nooutput
window_from = STATS_min
window_to = STATS_max
stats csv using "tempLimit" nooutput
temp_limit = STATS_min
stats csv using (column("h0Limit") * 1000) nooutput
h0_limit = STATS_min
set object 1 rectangle from window_from, graph 0 to window_to, graph 1 behind \
  fillcolor rgb "#e5f5e0" fillstyle solid noborder
set label 1 "every check holds" at window_from, graph 0.04 offset 0.5, 0 textcolor rgb "#31a354"
set xlabel "bearing clearance s in mm (at 20 C)"
set ylabel "balanced outlet temperature in C"
set y2label "minimum film thickness h0 in um"
set ytics nomirror
set y2tics
set xrange [0:0.3]
set yrange [40:100]
set y2range [0:20]
set key below center maxrows 2 title "B/D 0.5, D 120 mm, 36 kN, 2000 1/min, ISO VG 46, inlet 40 C"
set grid
plot csv using "clearance":"oilOutletTemp" with linespoints linewidth 2 pointtype 7 \
       linecolor rgb "#d95f02" title "outlet temperature", \
     temp_limit with lines dashtype 2 linewidth 2 linecolor rgb "#d95f02" \
       title sprintf("temperature limit %g C", temp_limit), \
     csv using "clearance":(column("h0") * 1000) axes x1y2 with linespoints linewidth 2 \
       pointtype 6 linecolor rgb "#1b9e77" title "h0", \
     h0_limit axes x1y2 with lines dashtype 2 linewidth 2 linecolor rgb "#1b9e77" \
       title sprintf("h0lim %g um", h0_limit)
