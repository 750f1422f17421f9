// args: --lang javascript
/* a block comment
   over lines */ const pattern = /ab+c[/]\//gi, half = total / 2 / count;
let single = 'it\'s', double = "a \
continued", big = 0x1F_FFn + 1_000.5e-3 + .5 + 0b101 + 0o17 + 7n;
const list = `<ul>${items.map(i => `<li class="${i.kind}">${i.name}</li>`).join("")}</ul>
and more ${ {a: 1}.a } text`;
if (ok) return /x/.test(y); else z = a++ / 2 + (b) / 3 + c[0] / 4;
x = typeof /re/; y = [/a/, /b/]; w = n / m / k;
async function* gen() { yield await this.#value ?? null ?? undefined; }
class A extends B { static #count = 0; get v() { return super.v; } set v(x) {} }
for (const key of Object.keys(o)) if (key in o && !false) void 0;
<!-- an old page's comment
--> and its end
const unclosed = "runs to the line's end
