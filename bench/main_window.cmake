# The main window: "Open Datalog" on a generated million-line datalog through the real window
# (offscreen) against the same command without a window, with the longest stretch the
# window's event loop was kept waiting; and the plot refresh of a full map.
if(TARGET tallimar_ui)
  tallimar_bench(main_window_bench QT main_window_bench.cpp)
  target_link_libraries(main_window_bench PRIVATE tallimar_testsupport)
endif()
