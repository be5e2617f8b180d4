set(LEARNING_SOURCES learning/engine.cpp learning/training_parameters.cpp)
