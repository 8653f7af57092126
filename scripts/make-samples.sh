#!/usr/bin/env bash
# Regenerates the real-firmware samples in samples/: SeaBIOS under QEMU builds
# the SMBIOS tables from -smbios options, the monitor's pmemsave saves the
# first MiB as a memory image, a VPD block is written into a free 16-byte
# step of the BIOS area, and dmidecode writes a dump of the same table.
# Needs qemu-system-x86, seabios, dmidecode and python3.
set -euo pipefail
cd "$(dirname "$0")/.."
out=samples
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A raw SMBIOS structure: type, handle, formatted bytes (hex), strings.
blob() {
  python3 - "$@" <<'PY'
import struct, sys
path, t, handle, formatted = sys.argv[1], int(sys.argv[2]), int(sys.argv[3], 0), bytes.fromhex(sys.argv[4])
strings = [s.encode('latin-1') for s in sys.argv[5:]]
b = bytes([t, 4 + len(formatted)]) + struct.pack('<H', handle) + formatted
b += b''.join(s + b'\0' for s in strings) + b'\0' if strings else b'\0\0'
open(path, 'wb').write(b)
PY
}

# Boots QEMU with the given options and saves the first MiB to $1.
capture() {
  local image=$1; shift
  local sock="$work/mon.sock"
  rm -f "$sock"
  qemu-system-x86_64 -machine pc -m 64 -display none -nodefaults -no-reboot \
    -monitor "unix:$sock,server,nowait" "$@" &
  local pid=$!
  for _ in $(seq 50); do [ -S "$sock" ] && break; sleep 0.1; done
  sleep 2  # SeaBIOS builds its tables within a second or two
  python3 - "$sock" "$image" <<'PY'
import socket, sys, time
s = socket.socket(socket.AF_UNIX); s.connect(sys.argv[1]); time.sleep(0.3); s.recv(65536)
s.send(('pmemsave 0 0x100000 "%s"\n' % sys.argv[2]).encode()); time.sleep(1.5); s.recv(65536)
s.send(b'quit\n'); time.sleep(0.3)
PY
  wait "$pid" || true
}

# Writes a VPD block (length byte, then fields at their offsets) into the
# first 16-byte step of the BIOS area that holds 64 zero bytes.
vpd() {
  python3 - "$@" <<'PY'
import sys
path, length = sys.argv[1], int(sys.argv[2], 0)
fields = dict((int(k), v.encode('latin-1')) for k, v in (a.split('=', 1) for a in sys.argv[3:]))
img = bytearray(open(path, 'rb').read())
at = next(a for a in range(0xF0000, 0x100000, 16) if img[a:a + 64] == bytes(64))
block = bytearray(b'\xaa\x55VPD' + bytes([length]) + bytes(max(length, 47) - 6))
for off, text in fields.items():
    block[off:off + len(text)] = text
img[at:at + len(block)] = block
open(path, 'wb').write(img)
print('VPD block at %#x' % at)
PY
}

dump() { dmidecode --dev-mem "$1" --dump-bin "$2" >/dev/null; }

# zaq-server: a server with the service processor, the management adapter,
# an IPMI controller and a VPD block.
capture "$out/zaq-server.img" \
  -smbios type=0,vendor="ZAQ Firmware",version=A1.07,date=03/14/2025 \
  -smbios type=1,manufacturer="ZAQ Systems",product="ZAQ Server 4200 -[8670AB1]-",serial=SN8670X42 \
  -smbios type=11,value="ZAQ Telvane SP rev 2",value="ZAQ Marlix -[93H1]- adapter" \
  -device ipmi-bmc-sim,id=bmc0 -device isa-ipmi-kcs,bmc=bmc0
vpd "$out/zaq-server.img" 0x30 6=ZAQVPD01 22=23A4567 29=MB-1234_567 40=8670AB1
dump "$out/zaq-server.img" "$out/zaq-server.dump"

# pelorin-oem: raw OEM structures placed ahead of the BIOS Information
# structure, two OEM Strings structures with the service-processor mark only
# in the second, a product name that begins with the machine type, and a
# serial number with a byte above 0x7F.
blob "$work/oem130.bin" 130 0x8200 01 pelorin
blob "$work/oem11a.bin" 11 0x8300 01 "Asset 42"
blob "$work/oem11b.bin" 11 0x8301 02 "ZAQ Telvane SP" "xx ZAQ Marlix -[1234]"
capture "$out/pelorin-oem.img" \
  -smbios file="$work/oem130.bin" -smbios file="$work/oem11a.bin" -smbios file="$work/oem11b.bin" \
  -smbios type=1,manufacturer="Pelorin Computers",product="4711XR Workstation",serial=$'N\xe9 0815'
dump "$out/pelorin-oem.img" "$out/pelorin-oem.dump"

# plain: the emulator's defaults, nothing added.
capture "$out/plain.img"
dump "$out/plain.img" "$out/plain.dump"

# smbios3: only an SMBIOS 3 ("_SM3_") entry point in the image; its dump
# shows the table through a legacy entry point.
capture "$out/smbios3.img" -machine smbios-entry-point-type=64 \
  -smbios type=1,manufacturer="ZAQ Systems",product="Tower -[2468]-",serial=T3
dump "$out/smbios3.img" "$out/smbios3.dump"
ls -l "$out"
