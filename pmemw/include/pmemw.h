/*
 * pmemw: the physical-memory service behind fwprobe.
 *
 * Besides the five service operations the library calls (PMemIsInitialized,
 * PMemOpen, PMemSearch, PMemRead, PMemClose), the service lets its host say
 * where physical memory comes from. A source is named by a short text:
 *
 *   image:PATH   a memory image: byte N of the file is physical address N
 *                (the layout of /dev/mem); reads past its end fail
 *   dump:PATH    a binary SMBIOS dump (entry point at offset 0, table at
 *                offset 32), shown with a "_DMI_" entry point in the BIOS area
 *   devmem       this machine's /dev/mem
 *   sysfs[:DIR]  this machine's SMBIOS tables from /sys/firmware/dmi/tables
 *                (or DIR), shown like a dump; there is no BIOS area here
 *   firmware     (Windows) GetSystemFirmwareTable: the BIOS area from 'FIRM'
 *                where Windows offers it, the table from 'RSMB' shown through
 *                a legacy "_DMI_" entry point where the BIOS area holds none
 *   default      this machine. On Windows: firmware. Elsewhere: /dev/mem
 *                where it can be read, with the table shown through sysfs
 *                when the BIOS area holds no valid legacy entry point; sysfs
 *                alone where /dev/mem cannot be read
 *
 * A table too long for the legacy 16-bit length is never shown cut: the
 * source then shows no entry point. A memory image up to 256 MiB is read
 * once, when the source is selected; dumps and sysfs tables likewise.
 * Without a selection the service uses the environment variable PMEMW_SOURCE
 * (same syntax), and "default" when that is unset or empty.
 */
#ifndef PMEMW_H
#define PMEMW_H

#if defined(_WIN32) && !defined(_WIN64)
#define PMEMW_CALL __stdcall
#else
#define PMEMW_CALL
#endif

#if defined(_WIN32)
#define PMEMW_API
#else
#define PMEMW_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Selects the source; a null or empty spec returns to PMEMW_SOURCE. Returns 1
 * when the source can be used now, 0 otherwise (PMemSourceError says why). */
PMEMW_API int PMEMW_CALL PMemSelectSource(const char *spec);

/* A one-line account of why the current source cannot be used (what was
 * tried and what failed), or "" when it can. Valid until the next call. */
PMEMW_API const char *PMEMW_CALL PMemSourceError(void);

/* A short description of the source that answers, e.g.
 * "memory image samples/x.img" or "sysfs tables"; "" when none can. */
PMEMW_API const char *PMEMW_CALL PMemSourceName(void);

#ifdef __cplusplus
}
#endif

#endif /* PMEMW_H */
