// The program's embedded files (data-file template, member page) are compiled into this library.
