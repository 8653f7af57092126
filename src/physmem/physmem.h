// The five operations of the physical-memory service (pmemw), as the library
// calls them. The library contains none of them: they come from the service
// library it links against (or from the test double).
//
// Call order: PMemIsInitialized, PMemOpen, then any number of PMemSearch and
// PMemRead, then PMemClose.
#ifndef FWPROBE_PHYSMEM_H
#define FWPROBE_PHYSMEM_H

#include <stdint.h>

#if defined(_WIN32) && !defined(_WIN64)
#define PMEM_CALL __stdcall
#else
#define PMEM_CALL
#endif

#if defined(_WIN32)
#define PMEM_API
#else
#define PMEM_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

// Nonzero when the service can be used.
PMEM_API int PMEM_CALL PMemIsInitialized(void);

// Nonzero when the service was opened.
PMEM_API int PMEM_CALL PMemOpen(void);

// The lowest address start + k * step in [start, end] at which physical
// memory holds the bytes of the NUL-terminated pattern, or 0 when none does.
PMEM_API uint32_t PMEM_CALL PMemSearch(const char *pattern, uint32_t start, uint32_t end, uint32_t step);

// Copies length bytes of physical memory at address into destination;
// 0 on success, nonzero on failure.
PMEM_API int PMEM_CALL PMemRead(void *destination, uint32_t address, uint32_t length);

// Closes the service. The result carries no meaning for the library.
PMEM_API int PMEM_CALL PMemClose(void);

#ifdef __cplusplus
}
#endif

#endif
