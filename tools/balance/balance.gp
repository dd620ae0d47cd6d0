# The chart of doc/balance.svg: the balanced outlet temperature and the
# minimum film thickness over the speed, from palimo-balance's CSV. Call with
#   gnuplot -e "csv='balance.csv'" -e "svg='balance.svg'" balance.gp
set terminal svg size 760,480 font "sans,13" background "white"
set output svg
set datafile separator ","
set datafile columnheaders
set xlabel "speed n in 1/min"
set ylabel "balanced outlet temperature in C"
set y2label "minimum film thickness h0 in um"
set ytics nomirror
set y2tics
set xrange [0:8000]
set yrange [40:90]
set y2range [0:40]
set key top left title "B/D 0.5, D 120 mm, 36 kN, ISO VG 46, inlet 40 C"
set grid
plot csv using "speed":"oilOutletTemp" with linespoints linewidth 2 pointtype 7 \
       linecolor rgb "#d95f02" title "outlet temperature", \
     csv using "speed":(column("h0") * 1000) axes x1y2 with linespoints linewidth 2 \
       pointtype 6 linecolor rgb "#1b9e77" title "h0"
