// The rules as the web page runs them: the WebAssembly module, loaded as the
// page loads it, plays every level of the shared table (rules_table.tsv) and
// must agree with it move for move.
//
//   node --no-experimental-fetch rules_test.js korvalo_web.js rules_table.tsv
'use strict';

const fs = require('fs');
const path = require('path');

const [modulePath, tablePath] = process.argv.slice(2);
const failures = [];
function check(condition, message) {
  if (!condition) failures.push(message);
}

function readTable(file) {
  return fs.readFileSync(file, 'utf8').split('\n')
    .filter(line => line !== '' && !line.startsWith('#'))
    .map(line => {
      const [code, verdict, length, solution, balls] = line.split('\t');
      return { code, verdict, length, solution, balls: balls === '-' ? [] : balls.split(' ') };
    });
}

/// The page's own way of calling the module.
function wrap(module) {
  const text = pointer => module.UTF8ToString(pointer);
  return {
    open(code) {
      const size = module.lengthBytesUTF8(code) + 1;
      const pointer = module._malloc(size);
      module.stringToUTF8(code, pointer, size);
      const result = module._korvalo_open(pointer);
      module._free(pointer);
      return result;
    },
    tilt: direction => module._korvalo_tilt(direction),
    undo: () => module._korvalo_undo(),
    restart: () => module._korvalo_restart(),
    status: () => text(module._korvalo_status_text()),
    solution: () => text(module._korvalo_solution_from_here()),
    balls: () => text(module._korvalo_balls()),
    code: () => text(module._korvalo_code()),
    shortest: () => module._korvalo_shortest_from_start(),
    solved: () => module._korvalo_is_solved(),
    moves: () => module._korvalo_move_count(),
  };
}

const Verdicts = ['invalid', 'unsolvable', 'solvable'];
const Directions = 'NSWE';

function playTable(module, cases) {
  const game = wrap(module);
  for (const c of cases) {
    const where = `${c.code}: `;
    const verdict = Verdicts[game.open(c.code)];
    check(verdict === c.verdict, `${where}verdict ${verdict}, expected ${c.verdict}`);
    if (verdict === 'invalid' || c.verdict === 'invalid') continue;
    const shortest = game.shortest();
    check(String(shortest < 0 ? '-' : shortest) === c.length, `${where}shortest ${shortest}, expected ${c.length}`);
    const solution = game.solution() || '-';
    check(solution === c.solution, `${where}solution ${solution}, expected ${c.solution}`);
    if (c.verdict !== 'solvable' || c.solution === '-') continue;
    [...c.solution].forEach((letter, i) => {
      check(game.tilt(Directions.indexOf(letter)) === 1, `${where}move ${i + 1} (${letter}) moved nothing`);
      check(game.balls() === c.balls[i], `${where}balls ${game.balls()} after move ${i + 1}, expected ${c.balls[i]}`);
    });
    check(game.solved() === 1, `${where}not solved at the end`);
    const n = c.solution.length;
    check(game.status().includes(`Solved in ${n} move`), `${where}status "${game.status()}" at the end`);
    check(game.undo() === 1 && game.moves() === n - 1, `${where}undo at the end`);
    game.restart();
    check(game.moves() === 0 && game.solution() === c.solution, `${where}restart`);
  }
}

function checkEdges(module) {
  const game = wrap(module);
  check(game.open('3111221000110FBE5') === 2, 'capital wall digits are read');
  check(game.code() === '3111221000110fbe5', `written code ${game.code()}`);
  check(module._korvalo_tilt(4) === 0 && module._korvalo_tilt(-1) === 0, 'a direction out of range moves nothing');
  check(game.balls() === '111221', 'balls unchanged after tilts out of range');
  check(module._korvalo_image_buffer(0, 108, 28) === 0, 'an image of the wrong size gets no buffer');
  check(module._korvalo_image_buffer(6, 1, 1) === 0, 'an image number out of range gets no buffer');
  check(module._korvalo_image_ready(0) === 0, 'an image never given is not ready');
  check(module._korvalo_draw() === 0, 'nothing is drawn before the images are in');
  check(module._korvalo_area_width() === 157 && module._korvalo_area_height() === 147,
        `board area of a 3 x 3 level ${module._korvalo_area_width()} x ${module._korvalo_area_height()}`);
}

/// The page loads the images the module names, in its order; each must be
/// one of the board images the site copies, and each a different one.
function checkImageNames(module) {
  const names = [];
  for (let which = 0; module._korvalo_image_name(which) && which < 10; ++which) {
    names.push(module.UTF8ToString(module._korvalo_image_name(which)));
  }
  check(names.length === 6, `the module names ${names.length} images`);
  check(new Set(names).size === names.length, `an image named twice: ${names}`);
  const folder = path.join(path.dirname(tablePath), '..', '..', 'view', 'images');
  names.forEach(name => check(fs.existsSync(path.join(folder, name)), `no image file ${name}`));
  check(module._korvalo_image_name(-1) === 0, 'an image number below 0 has no name');
}

require(path.resolve(modulePath))().then(module => {
  const cases = readTable(tablePath);
  check(cases.length >= 10, `only ${cases.length} levels in the table`);
  playTable(module, cases);
  checkEdges(module);
  checkImageNames(module);
  if (failures.length > 0) {
    console.error(failures.join('\n'));
    process.exit(1);
  }
  console.log(`${cases.length} levels played as the table says`);
}, error => {
  console.error(`the module did not load: ${error}`);
  process.exit(1);
});
