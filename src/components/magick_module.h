#pragma once

// The interface of libtovak_magick.so, the module that holds everything GraphicsMagick does for
// the program. GraphicsMagick and the libraries it pulls in (dozens, several with heavy static
// initialisers) would otherwise be loaded and started by every run of every program, though
// only a few rare formats need them; the module is opened on first use instead.
//
// Plain C across the boundary: no exceptions and no C++ types cross it.

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// Raised whenever a function below changes, so that a stale module is refused, not called.
#define TOVAK_MAGICK_INTERFACE 1

#define TOVAK_MAGICK_MODULE_NAME "libtovak_magick.so"

// The message buffers the functions fill on failure hold at least this much.
#define TOVAK_MAGICK_MESSAGE_SIZE 256

typedef struct TovakMagickHeader {
  int width;
  int height;
  int bitsPerPixel;
  int pageCount;
} TovakMagickHeader;

// Gives the decoder memory for width x height pixels of 4 bytes (B, G, R, A) in rows without
// padding, or NULL when it cannot.
typedef uint8_t* (*TovakMagickAllocate)(void* context, int width, int height, int hasAlpha);

// Every function returns 0 on success; otherwise it has written the reason to message.
typedef int (*TovakMagickInterfaceFn)(void);
typedef int (*TovakMagickStartFn)(int64_t maxPixels, char* message);
typedef int (*TovakMagickPingFn)(const uint8_t* data, size_t size, const char* coder,
                                 int vectorDensity, TovakMagickHeader* header, char* message);
typedef int (*TovakMagickDecodeFn)(const uint8_t* data, size_t size, const char* coder,
                                   int vectorDensity, TovakMagickAllocate allocate, void* context,
                                   char* message);

#define TOVAK_MAGICK_INTERFACE_SYMBOL "tovak_magick_interface"
#define TOVAK_MAGICK_START_SYMBOL "tovak_magick_start"
#define TOVAK_MAGICK_PING_SYMBOL "tovak_magick_ping"
#define TOVAK_MAGICK_DECODE_SYMBOL "tovak_magick_decode"

#ifdef __cplusplus
}
#endif
