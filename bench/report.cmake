# The report page of a full raw data map: laying it out, painting it into a PDF and onto the
# preview, against filling as many plain boxes into a PDF page with QPainter.
if(TARGET tallimar_ui)
  tallimar_bench(report_bench QT report_bench.cpp)
  target_link_libraries(report_bench PRIVATE tallimar_ui)
endif()
