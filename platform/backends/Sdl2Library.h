#pragma once
// SDL2 as the backend calls it, loaded when the first window is opened rather than when the
// program starts: a program that links the backend but opens no window (the tool's journal,
// dump and crypt commands) neither loads SDL2 nor the forty display and sound libraries that SDL2
// brings, and so starts in a fraction of the time.
#include <SDL.h>

#define DVRKIT_SDL2_FUNCTIONS(F)                                                                              \
    F(CreateRenderer) F(CreateTexture) F(CreateWindow) F(DestroyRenderer) F(DestroyTexture) F(DestroyWindow) \
    F(GetError) F(GetMouseState) F(InitSubSystem) F(PollEvent) F(Quit) F(QuitSubSystem) F(RenderClear)      \
    F(RenderCopy) F(RenderPresent) F(RenderReadPixels) F(SetHint) F(StartTextInput) F(UpdateTexture)        \
    F(WaitEventTimeout) F(WasInit)

struct Sdl2Library {
#define DVRKIT_SDL2_MEMBER(name) decltype(&SDL_##name) name = nullptr;
    DVRKIT_SDL2_FUNCTIONS(DVRKIT_SDL2_MEMBER)
#undef DVRKIT_SDL2_MEMBER
};

// The SDL2 library, loaded on the first call; throws std::runtime_error naming the library and the
// loader's reason when it is not installed or lacks a function.
const Sdl2Library& Sdl2();
