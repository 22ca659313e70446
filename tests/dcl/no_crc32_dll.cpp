// A compressor library that lacks "_crc32" (see no_crc32.def): TCompressor
// must refuse it.
extern "C" unsigned int __cdecl stubExplode(void*, void*, char*, void*) { return 4; }
extern "C" unsigned int __cdecl stubImplode(void*, void*, char*, void*, unsigned int*, unsigned int*) { return 4; }
