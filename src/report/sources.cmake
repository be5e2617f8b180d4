set(REPORT_SOURCES
  report/number_formats.cpp
  report/date_time_formats.cpp
  report/progress_text.cpp
  report/failure_text.cpp
  report/replace_file.cpp
  report/report_time.cpp
  report/results_report.cpp)
