# Plot display lists: every VE view and the main raw map plot of a full map, against filling
# a list with as many plain boxes; and, with the Qt renderer, painting them.
tallimar_bench(plot_bench plot_bench.cpp)
if(TARGET tallimar_ui)
  tallimar_bench(plot_paint_bench QT plot_paint_bench.cpp)
endif()
