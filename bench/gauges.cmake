# The analog gauge: a needle-only update and a full redraw, against painting the unchanged
# gauge; and the live-data window polling tallimar-ecu-sim: samples against polls, CPU share
# and the latest poll tick.
if(TARGET tallimar_ui)
  tallimar_bench(gauge_bench QT gauge_bench.cpp)
  target_link_libraries(gauge_bench PRIVATE tallimar_ui)
endif()
if(TARGET tallimar_ui AND TARGET tallimar-ecu-sim)
  add_executable(live_window_bench live_window_bench.cpp)
  target_link_libraries(live_window_bench PRIVATE tallimar_ui tallimar_warnings)
  target_include_directories(live_window_bench PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_compile_definitions(live_window_bench PRIVATE
    TALLIMAR_ECU_SIM="$<TARGET_FILE:tallimar-ecu-sim>")
  add_dependencies(live_window_bench tallimar-ecu-sim)
endif()
