/*
 * fwprobe: firmware identity and capability queries.
 *
 * The library reads two firmware data areas in physical memory, the SMBIOS
 * structure table (through its "_DMI_" entry point in the BIOS area
 * 0xF0000-0xFFFFF) and the vital product data (VPD) block in the same area,
 * and answers through the twelve functions below. Physical memory is reached
 * only through the physical-memory service library (pmemw).
 *
 * General contract
 * - Every buffer belongs to the caller. The library allocates nothing that
 *   outlives a call and keeps no handle between calls.
 * - Calls must not overlap: the library takes no locks, and each call opens
 *   and closes the physical-memory service itself.
 * - Strings are copied byte for byte (no code-page conversion) and are always
 *   NUL-terminated. Case-insensitive comparisons fold only ASCII A-Z/a-z.
 * - SMBIOS string buffers carry no size: each must hold the firmware string
 *   and its NUL. No firmware string is longer than the table, so a buffer of
 *   FWPROBE_SMBIOS_STRING_MAX (65,536) bytes can never overflow.
 * - A null pointer is never dereferenced: for the SMBIOS queries a null
 *   buffer is skipped (nothing is written there, the result is unchanged);
 *   the VPD functions document their own answer to bad arguments.
 * - On 32-bit Windows every function is __stdcall (FWPROBE_CALL) and is
 *   exported by its bare name.
 */
#ifndef FWPROBE_H
#define FWPROBE_H

#if defined(_WIN32) && !defined(_WIN64)
#define FWPROBE_CALL __stdcall
#else
#define FWPROBE_CALL
#endif

#if defined(_WIN32)
#define FWPROBE_API
#else
#define FWPROBE_API __attribute__((visibility("default")))
#endif

/* A buffer this large holds any SMBIOS string and its NUL. */
#define FWPROBE_SMBIOS_STRING_MAX 65536

#ifdef __cplusplus
extern "C" {
#endif

/* 1 when a valid "_DMI_" entry point is present, else 0. Does not copy the
 * table. */
FWPROBE_API int FWPROBE_CALL isSmbios(void);

/* Reads Manufacturer, Product Name and Serial Number of the first System
 * Information (type 1) structure. All three buffers are emptied first, so
 * every failure leaves empty strings. A string the structure does not name
 * (number 0, or beyond the last string) leaves its buffer empty.
 * Results: 0 success; 1 no SMBIOS entry point (service not ready, cannot be
 * opened, no valid entry point, or the table could not be read); 2 the table
 * holds no type-1 structure. */
FWPROBE_API int FWPROBE_CALL SMBIOSGetSystem(char *manufacturer, char *productName, char *serialNumber);

/* Reads Vendor, BIOS Version and BIOS Release Date (string numbers at
 * offsets 4, 5 and 8) of the first structure of the table, whatever its
 * type; on ordinary firmware that is the BIOS Information structure.
 * Buffers are emptied first. Results: 0 success; 1 no SMBIOS entry point;
 * 2 the table holds no structure at all. */
FWPROBE_API int FWPROBE_CALL SMBIOSGetBiosInfo(char *vendor, char *version, char *releaseDate);

/* 1 when the system manufacturer string begins with "ZAQ", ASCII case
 * ignored; 0 otherwise, including no entry point, no type-1 structure or no
 * manufacturer string. */
FWPROBE_API int FWPROBE_CALL isZaqSmbios(void);

/* Derives the four-digit machine type from the system product name: the four
 * characters after the first "-[" when the name holds one, else the first
 * four characters. Only the first 255 characters of the product name are
 * examined. *machineType* (5 bytes or more) is emptied first.
 * Results: 1 success, machineType holds four digits and a NUL; 2 the four
 * candidate characters are not all decimal digits; 3 no SMBIOS entry point
 * or no type-1 structure. */
FWPROBE_API int FWPROBE_CALL SMBIOSGetMachineType(char *machineType);

/* 1 when, for some type 128-255, the first structure of that type names by
 * its offset-4 byte a string equal to "Pelorin" (ASCII case ignored, whole
 * string); else 0. */
FWPROBE_API int FWPROBE_CALL isPelorinSmbios(void);

/* 1 when one of the strings 1..Count of the first OEM Strings (type 11)
 * structure contains "ZAQ Telvane" (exact bytes); later type-11 structures
 * are not examined. Else 0. */
FWPROBE_API int FWPROBE_CALL SMBIOSIsH8Enabled(void);

/* 1 when one of the strings 1..Count of any OEM Strings (type 11) structure
 * contains "ZAQ Marlix -[" (exact bytes); else 0. */
FWPROBE_API int FWPROBE_CALL SMBIOSIsMarlixEnabled(void);

/* 1 when the table holds an IPMI Device Information (type 38) structure;
 * else 0. */
FWPROBE_API int FWPROBE_CALL SMBIOSQueryIpmi(void);

/* Result codes of the VPD functions. */
#define FWPROBE_VPD_OK 0
#define FWPROBE_VPD_NOT_LOADED 61
#define FWPROBE_VPD_OPEN_FAILED 62
#define FWPROBE_VPD_NOT_READY 63
#define FWPROBE_VPD_NOT_FOUND 64

/* Finds the VPD block (0xAA 0x55 "VPD", then its length byte, at a 16-byte
 * step in 0xF0000-0xFFFFF; the lowest match is the only candidate) and copies
 * it into *buffer*. On entry *length* holds the buffer's capacity; when the
 * block is shorter, *length* is lowered to the block length. Then *length*
 * bytes are copied.
 * Results: 0 success; 62 the service could not be opened; 63 the service is
 * not ready; 64 no block, a header mismatch, or a read failed (after a failed
 * block read *length* may have been lowered and *buffer* holds what the read
 * left).
 * Bad arguments: a null *buffer* or *length*, or a negative capacity, give 64
 * at once; nothing is read, written or opened.
 * A capacity of 0 loads nothing and succeeds. The first success marks a
 * block as loaded for VPDGetSystem and VPDGetMotherboard; a later failure
 * does not undo that. */
FWPROBE_API int FWPROBE_CALL VPDLoadData(unsigned char *buffer, int *length);

/* Formats the 16-character system identity "1S" + VPD bytes 40-46 + VPD
 * bytes 22-28 into *identity* (size bytes): n = min(16, size - 1) characters
 * and a NUL; every byte that is not an ASCII letter or digit becomes a space.
 * *vpd* is the buffer VPDLoadData filled, at least 47 bytes.
 * Results: 0 success; 61 no block has been loaded yet, or the arguments
 * cannot take a result (identity or vpd null, size 0 or below); on 61
 * *identity* is untouched. */
FWPROBE_API int FWPROBE_CALL VPDGetSystem(char *identity, int size, const unsigned char *vpd);

/* As VPDGetSystem, for the 11-character motherboard identity (VPD bytes
 * 29-39); n = min(11, size - 1); *vpd* at least 40 bytes. Results 0 or 61. */
FWPROBE_API int FWPROBE_CALL VPDGetMotherboard(char *identity, int size, const unsigned char *vpd);

#ifdef __cplusplus
}
#endif

#endif /* FWPROBE_H */
