# The vendor USB library's calls as the link imports them and the stand-in
# exports them: name, bytes of arguments (32-bit), ordinal.
set(QV_WDU_EXPORTS
  WDU_Init:20:1
  WDU_Uninit:4:2
  WDU_ResetDevice:8:3
  WDU_SetInterface:12:4
  WDU_TransferBulk:32:5
  WDU_HaltTransfer:8:6
  ThreadStart:12:7
  ThreadWait:4:8)
