# Time against picture size, log-log: lumeno's processing run and the other tools doing the
# same curve. Driven by scripts/plot-bench, which sets datafile (columns: pixels, lumeno's
# run, cv2.LUT, Pillow, ImageMagick, size label, lumeno's run in a real X server; "?" where
# not measured) and output.
set terminal pngcairo size 900,660 font "DejaVu Sans,10"
set output output
set datafile missing "?"
set logscale xy
set grid xtics ytics mytics
set key below Left reverse
set title "The brightness curve, b = 2: time per picture (median wall clock)"
set xlabel "picture size (number of pixels, log scale)" offset 0,-1
set ylabel "time (ms, log scale)"
set format y "%g"
set offsets graph 0.03, graph 0.03, 0, 0
plot datafile using 1:2:xtic(6) with linespoints lw 2 pt 7 title "lumeno: processing run (offscreen, pumps and repaints included)", \
     "" using 1:3 with linespoints lw 2 pt 5 title "OpenCV cv2.LUT, 1 thread", \
     "" using 1:4 with linespoints lw 2 pt 9 title "Pillow Image.point, 768-entry table", \
     "" using 1:5 with linespoints lw 2 pt 13 title "ImageMagick convert -fx (whole command)", \
     "" using 1:7 with points pt 6 ps 2 lc rgb "black" title "lumeno: defined window in Xvfb, click to last row on screen"
