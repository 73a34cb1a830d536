' f5x8.bas
' Font type    : Full (2 characters)
' Font start   : CHR$(65)
' Font size    : 5x8 pixels
' Memory usage : 14 bytes
DefineFont #8
  02410805
  00000080 40000001 00000000
End DefineFont
