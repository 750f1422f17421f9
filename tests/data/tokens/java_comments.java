// args: --lang java
/** A documentation comment
 * that runs on
 */ class A {}
/* an ordinary block comment
   over two lines */ int b;
/**/ still a documentation comment
*/ done
/* closed */ /** closed too */ // and a line comment /* with an opener
int x = a / b; x /= 2;
