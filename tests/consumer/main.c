/* A tiny management application built against an installed fwprobe. */
#include <fwprobe.h>
#include <stdio.h>
#include <stdlib.h>

int main(void) {
  char *m = calloc(FWPROBE_SMBIOS_STRING_MAX, 1);
  char *p = calloc(FWPROBE_SMBIOS_STRING_MAX, 1);
  char *s = calloc(FWPROBE_SMBIOS_STRING_MAX, 1);
  char type[5] = "";
  if (!m || !p || !s) return 2;
  int present = isSmbios();
  int result = SMBIOSGetSystem(m, p, s);
  int typeResult = SMBIOSGetMachineType(type);
  printf("isSmbios=%d system=%d manufacturer=%s machineType=%d:%s\n", present, result, m, typeResult, type);
  free(m);
  free(p);
  free(s);
  return 0;
}
