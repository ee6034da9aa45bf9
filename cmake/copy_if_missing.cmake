# cmake -DFROM=file -DTO=file -P copy_if_missing.cmake
# Copies FROM to TO only when TO does not exist: the game's data.ini in build/game/ holds the
# player's settings and high scores, and a rebuild must never put the shipped defaults over it.
if(NOT EXISTS "${TO}")
    file(COPY_FILE "${FROM}" "${TO}")
endif()
