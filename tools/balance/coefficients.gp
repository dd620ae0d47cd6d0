# The chart of doc/coefficients.svg: the film's load-normalised stiffness
# and damping over the Sommerfeld number, for B/D 0.5 (thin, open points) and 1
# (thick). From palimo_coefficients --csv; call with
#   gnuplot -e "csv='coefficients.csv'" -e "svg='coefficients.svg'" coefficients.gp
# and for a bore's chart (doc/bore-NAME.svg) add its name and the count of
# Sommerfeld numbers at each B/D: -e "bore='lemon'" -e "rows=15".
if (!exists("rows")) rows = 7
if (!exists("bore")) bore = ""
set terminal svg size 900,520 font "sans,12" background "white"
set output svg
set datafile separator ","
set datafile columnheaders
set multiplot layout 1,2
set logscale x
if (bore ne "") { set autoscale xfix }
set xlabel "Sommerfeld number So"
set grid
set key below maxrows 4 font ",10"
names = "UU UV VU VV"
colours = "#1b9e77 #d95f02 #7570b3 #e7298a"
do for [kind in "stiff damp"] {
  set title (bore eq "" ? "" : bore.": ").(kind eq "stiff" ? "stiffness K = k c / F" : "damping C = d c w / F")
  set ylabel (kind eq "stiff" ? "K" : "C")
  if (bore eq "") { set yrange [(kind eq "stiff" ? -15 : 0):30] } else { set autoscale y }
  # The first rows are B/D 0.5, as many again B/D 1.
  plot for [i=1:4] csv every ::rows::(2 * rows - 1) using "so":(column(kind.word(names, i))) \
         with linespoints linewidth 2 pointtype 7 pointsize 0.5 linecolor rgb word(colours, i) \
         title kind.word(names, i)." (B/D 1)", \
       for [i=1:4] csv every ::0::(rows - 1) using "so":(column(kind.word(names, i))) \
         with linespoints linewidth 1 pointtype 6 pointsize 0.7 linecolor rgb word(colours, i) \
         title kind.word(names, i)." (B/D 0.5)"
}
unset multiplot
