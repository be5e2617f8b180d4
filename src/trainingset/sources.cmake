set(TRAININGSET_SOURCES
  trainingset/file_text.cpp
  trainingset/load_messages.cpp
  trainingset/loader.cpp
  trainingset/number_text.cpp
  trainingset/value_scanner.cpp)
