# The ECU commands against tallimar-ecu-sim at 9600 baud: wall time of Read VE Map and of
# Send + verify, against the time their bytes take on the line, and the longest stall of the
# event loop meanwhile.
if(TARGET tallimar_ui AND TARGET tallimar-ecu-sim)
  tallimar_bench(ecu_bench ecu_bench.cpp)
  target_link_libraries(ecu_bench PRIVATE tallimar_ui)
  target_compile_definitions(ecu_bench PRIVATE
    TALLIMAR_ECU_SIM="$<TARGET_FILE:tallimar-ecu-sim>")
  add_dependencies(ecu_bench tallimar-ecu-sim)
endif()
