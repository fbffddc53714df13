# The VE table grid of the "Modify VE Map" window: showing a 16 x 16 table and switching its
# colours, against repainting the unchanged grid.
if(TARGET tallimar_ui)
  tallimar_bench(vemap_window_bench QT vemap_window_bench.cpp)
endif()
