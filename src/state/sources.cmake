set(STATE_SOURCES state/public_stuff.cpp)
