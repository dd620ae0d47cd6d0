# The chart of doc/coefficients.svg: the film's load-normalised stiffness
# and damping over the Sommerfeld number, for B/D 0.5 (thin, open points) and 1
# (thick). From palimo_coefficients --csv; call with
#   gnuplot -e "csv='coefficients.csv'" -e "svg='coefficients.svg'" coefficients.gp
set terminal svg size 900,520 font "sans,12" background "white"
set output svg
set datafile separator ","
set datafile columnheaders
set multiplot layout 1,2
set logscale x
set xlabel "Sommerfeld number So"
set grid
set key below maxrows 4 font ",10"
names = "UU UV VU VV"
colours = "#1b9e77 #d95f02 #7570b3 #e7298a"
do for [kind in "stiff damp"] {
  set title (kind eq "stiff" ? "stiffness K = k c / F" : "damping C = d c w / F")
  set ylabel (kind eq "stiff" ? "K" : "C")
  set yrange [(kind eq "stiff" ? -15 : 0):30]
  # The first seven rows are B/D 0.5, the next seven B/D 1.
  plot for [i=1:4] csv every ::7::13 using "so":(column(kind.word(names, i))) \
         with linespoints linewidth 2 pointtype 7 pointsize 0.5 linecolor rgb word(colours, i) \
         title kind.word(names, i)." (B/D 1)", \
       for [i=1:4] csv every ::0::6 using "so":(column(kind.word(names, i))) \
         with linespoints linewidth 1 pointtype 6 pointsize 0.7 linecolor rgb word(colours, i) \
         title kind.word(names, i)." (B/D 0.5)"
}
unset multiplot
