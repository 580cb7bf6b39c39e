#!/bin/sh
# Usage: check_exports.sh OBJDUMP QVPROT_DLL
# QVProt.dll exports its seven functions by plain name at ordinals 1 to 7, and
# imports nothing but system DLLs and WD_UTILS.DLL.
objdump=$1 dll=$2
table=$("$objdump" -p "$dll") || exit 1
status=0
base=$(echo "$table" | sed -n 's/^Ordinal Base[[:space:]]*//p')
for entry in 1:SendPacket 2:SendChannelPacket 3:SetCallbackFunction 4:GetActiveLink 5:GetOpenLinks \
             6:CloseCommunication 7:OpenCommunication; do
  ordinal=${entry%%:*} name=${entry#*:}
  index=$((ordinal - base))
  if ! echo "$table" | grep -Eq "^[[:space:]]*\[ *$index\] $name\$"; then
    echo "missing export $name at ordinal $ordinal" >&2
    status=1
  fi
done
names=$(echo "$table" | sed -n '/Ordinal\/Name Pointer/,/^$/p' | grep -Ec '^[[:space:]]*\[ *[0-9]+\] ')
[ "$names" -eq 7 ] || { echo "expected 7 exported names, found $names" >&2; status=1; }
for dll_name in $(echo "$table" | sed -n 's/^[[:space:]]*DLL Name: //p'); do
  case $(echo "$dll_name" | tr a-z A-Z) in
    KERNEL32.DLL|USER32.DLL|MSVCRT.DLL|WD_UTILS.DLL) ;;
    *) echo "unexpected import $dll_name" >&2; status=1 ;;
  esac
done
echo "$table" | grep -q 'DLL Name: WD_UTILS.DLL' || { echo "WD_UTILS.DLL is not imported by that name" >&2; status=1; }
exit $status
