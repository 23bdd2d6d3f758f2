# The chart of docs/performance.md: milliseconds per operation against N, ours
# and the baseline, and for the search the same search with its text as a
# literal and the previous code's bound pattern. Run by scripts/bench:
#   gnuplot -e "dados='FILE'; saida='docs/performance.png'" bench/grafico.gp
# `dados` holds one block per operation (open, post edited, post new, search,
# start-up), each line N, ours, baseline[, literal, previous].
set terminal pngcairo size 1200,760 font "DejaVu Sans,10"
set output saida
set logscale xy
set xrange [700:140000]
set xtics ("1 000" 1000, "10 000" 10000, "100 000" 100000)
set format y "%g"
set grid
set key top left
set xlabel "capsules (N), among 4·N other components"
set ylabel "ms (median)"
set multiplot layout 2,3 title "Capsule operations against the raw-API baseline, same run"
titulos = "'open Componentes' 'post an edited capsule' 'post a new capsule' 'description search (2 matches)' 'start-up to the editing state'"
do for [i=0:4] {
    set title word(titulos, i + 1)
    if (i == 3) {
        set yrange [0.1:100000]  # room above the lines for the longer key
        set key Left reverse
        plot dados index i using 1:2 with linespoints lw 2 pt 7 title "ours (STARTING WITH ?)", \
             dados index i using 1:3 with linespoints lw 2 pt 6 dt 2 title "baseline", \
             dados index i using 1:4 with linespoints lw 2 pt 4 dt 3 title "the literal LIKE 'Capsula gastro%'", \
             dados index i using 1:5 with linespoints lw 2 pt 2 dt 4 title "the previous code's LIKE ?"
        set autoscale y
        set key Right noreverse
    } else {
        plot dados index i using 1:2 with linespoints lw 2 pt 7 title "ours", \
             dados index i using 1:3 with linespoints lw 2 pt 6 dt 2 title "baseline"
    }
}
unset multiplot
