# The chart of doc/accuracy.svg: the Sommerfeld number over the relative
# eccentricity for five width ratios, the program's closed form (lines)
# against the Reynolds solution (points). Call with
#   gnuplot -e "csv='accuracy.csv'" -e "svg='accuracy.svg'" accuracy.gp
set terminal svg size 760,520 font "sans,13" background "white"
set output svg
set datafile separator ","
set datafile columnheaders
set logscale y
set format y "%g"
set xrange [0:1]
set yrange [0.001:100]
set xlabel "relative eccentricity eps"
set ylabel "Sommerfeld number So"
set key top left title "B/D: closed form (line), Reynolds solution (point)"
set grid
ratios = "0.125 0.25 0.5 0.75 1"
colors = "#1b9e77 #d95f02 #7570b3 #e7298a #66a61e"
plot for [i=1:5] csv using 2:($1 == word(ratios, i) + 0 ? $7 : NaN) \
       with lines linewidth 2 linecolor rgb word(colors, i) title word(ratios, i), \
     for [i=1:5] csv using 2:($1 == word(ratios, i) + 0 ? $3 : NaN) \
       with points pointtype 6 pointsize 1.3 linewidth 1.5 linecolor rgb word(colors, i) notitle
