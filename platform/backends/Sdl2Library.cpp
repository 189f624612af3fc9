#include "platform/backends/Sdl2Library.h"

#include <dlfcn.h>

#include <stdexcept>
#include <string>

namespace {

// SDL2's stable binary interface, as its runtime package installs it.
constexpr const char* kSdl2File = "libSDL2-2.0.so.0";

Sdl2Library Load() {
    void* handle = ::dlopen(kSdl2File, RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        throw std::runtime_error(std::string("cannot show a window: the SDL2 library cannot be loaded (") +
                                 ::dlerror() + ")");
    Sdl2Library library;
    // Kept loaded for the rest of the process: SDL's own threads and handlers live in it.
#define DVRKIT_SDL2_RESOLVE(name)                                                                      \
    library.name = reinterpret_cast<decltype(&SDL_##name)>(::dlsym(handle, "SDL_" #name));            \
    if (!library.name) throw std::runtime_error(std::string(kSdl2File) + " lacks SDL_" #name);
    DVRKIT_SDL2_FUNCTIONS(DVRKIT_SDL2_RESOLVE)
#undef DVRKIT_SDL2_RESOLVE
    return library;
}

}  // namespace

const Sdl2Library& Sdl2() {
    static const Sdl2Library library = Load();
    return library;
}
