// Reads two record files with @sabaki/sgf, another program's SGF reader, and prints every
// difference between their trees: per node, in sibling order, the decoded texts, moves, set-up,
// marks, game information and other properties, and the branches. What a save may add is left
// out: AP, CA, FF, GM and SZ, and on the root AB for the stones a file placed only by HA.
// Usage: node compare.js INPUT OUTPUT (both UTF-8). Exit status 0 the same, 1 different,
// 2 a file the reader refuses.
'use strict'
const fs = require('fs')
const sgf = require('@sabaki/sgf')

const added = new Set(['AP', 'CA', 'FF', 'GM', 'SZ'])
let boardSize = 19  // of the game being compared
const pointLists = new Set(['AB', 'AW', 'AE', 'TR', 'SQ', 'CR', 'MA', 'TB', 'TW', 'DD', 'SL'])

function read(path) {
  try {
    return sgf.parse(fs.readFileSync(path, 'utf8'))
  } catch (e) {
    console.log(`${path}: the reader refuses it: ${e.message}`)
    process.exit(2)
  }
}

function points(values) {
  const out = new Set()
  for (const value of values) {
    const colon = value.indexOf(':')
    if (colon !== 2 || value.length !== 5) {
      out.add(value)
      continue
    }
    const [x1, x2] = [value[0], value[3]].sort()
    const [y1, y2] = [value[1], value[4]].sort()
    for (let x = x1.charCodeAt(0); x <= x2.charCodeAt(0); x++)
      for (let y = y1.charCodeAt(0); y <= y2.charCodeAt(0); y++)
        out.add(String.fromCharCode(x, y))
  }
  return [...out].sort()
}

function normalised(data, root, inputRoot) {
  data = data || {}
  const out = {}
  for (const id of Object.keys(data).sort()) {
    if (added.has(id)) continue
    let values = data[id]
    if (pointLists.has(id)) values = points(values)
    else if (id === 'LB') values = [...values].sort()
    if (id === 'C' && values.every(v => v === '')) continue
    // A pass is written empty; tt means one only on boards of 19 lines or fewer.
    if ((id === 'B' || id === 'W') && boardSize <= 19) values = values.map(v => (v === 'tt' ? '' : v))
    out[id] = values
  }
  // Stones HA alone placed in the input may be named by AB in the output.
  if (root && inputRoot && 'HA' in inputRoot && !('AB' in inputRoot)) delete out.AB
  return out
}

// Walks both trees side by side with a stack of its own: a main line may be longer than the
// call stack allows. A node is named by its branch choices and its place in the sequence.
function compare(first, second, name, differences) {
  const stack = [[first, second, name, 0]]
  while (stack.length > 0 && differences.length < 20) {
    const [a, b, branch, depth] = stack.pop()
    const where = `${branch} node ${depth}`
    const x = JSON.stringify(normalised(a.data, a === first, null))
    const y = JSON.stringify(normalised(b.data, a === first, first.data))
    if (x !== y) differences.push(`${where}: input ${x}\n${' '.repeat(where.length)}  output ${y}`)
    if (a.children.length !== b.children.length)
      differences.push(`${where}: ${a.children.length} children in input, ${b.children.length} in output`)
    const n = Math.min(a.children.length, b.children.length)
    for (let i = n - 1; i >= 0; i--)
      stack.push([a.children[i], b.children[i], n === 1 ? branch : `${branch}.${i}`, depth + 1])
  }
}

const [input, output] = process.argv.slice(2).map(read)
const differences = []
if (input.length !== output.length)
  differences.push(`${input.length} game trees in input, ${output.length} in output`)
for (let g = 0; g < Math.min(input.length, output.length); g++) {
  boardSize = parseInt(((input[g].data || {}).SZ || ['19'])[0], 10) || 19
  compare(input[g], output[g], `game ${g + 1}`, differences)
}
for (const d of differences) console.log(d)
process.exit(differences.length > 0 ? 1 : 0)
