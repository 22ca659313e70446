#pragma once
/* The library's functions in the calling convention programs that use the
   PKWARE DCL expect (C, cdecl, 32-bit pointers in the DLL). impborl.def
   exports them as "_explode", "_implode" and "_crc32"; they are named dcl_*
   here so that they never collide with zlib's crc32 in a program that links
   both.

   Callbacks:
     read(buf, size, param): fill up to *size bytes at buf and return the
       count; 0 means the input has ended. A count above *size is taken as
       *size.
     write(buf, size, param): take *size bytes at buf (a block of the
       output). buf points into the work area: it is valid only during the
       call and must not be changed.
   Results: 0 no error, 1 invalid dictionary size, 2 invalid mode, 3 bad data,
   4 abort.

   dcl_explode: work is 12,596 bytes, any alignment. Reads the stream through
     read and writes the expanded bytes through write, block by block. 1 when
     the header's second byte is not 4, 5 or 6; 2 when the first is not 0 or
     1; 3 when fewer than two bytes arrive or a distance reaches before the
     first byte written; 4 when the input ends before the end code (or a
     pointer argument is null). Everything decodable before the fault has
     been written when it returns. Input is read in blocks of up to 2,048
     bytes, so bytes after the end code may have been read; they are
     ignored.
   dcl_implode: work is 36,312 bytes, any alignment. *type is 0 (binary) or 1
     (ASCII literals), *dsize 1024, 2048 or 4096. Reads the input until read
     returns 0 and writes one stream through write. 1 for another *dsize, 2
     for another *type (the size is checked first), 4 for a null pointer.
   dcl_crc32: returns *old_crc updated with the *size bytes at buf (the
     standard CRC-32 without pre- or post-conditioning: start with 0xFFFFFFFF
     and complement the result).

   All state lives in the work area: the functions are reentrant. */
#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32) && !defined(_WIN64)
#define DCL_CDECL __cdecl
#else
#define DCL_CDECL
#endif

typedef unsigned int(DCL_CDECL* dcl_read_fn)(char* buf, unsigned int* size, void* param);
typedef void(DCL_CDECL* dcl_write_fn)(char* buf, unsigned int* size, void* param);

unsigned int DCL_CDECL dcl_explode(dcl_read_fn read, dcl_write_fn write, char* work, void* param);
unsigned int DCL_CDECL dcl_implode(dcl_read_fn read, dcl_write_fn write, char* work, void* param,
                                   unsigned int* type, unsigned int* dsize);
unsigned long DCL_CDECL dcl_crc32(char* buf, unsigned int* size, unsigned long* old_crc);

#ifdef __cplusplus
}
#endif
