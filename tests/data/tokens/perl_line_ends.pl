# args: --lang perl
line with crlf

	indented
