// The game's keys as the web page reads them: the WebAssembly module's one
// table of keys (play/game_keys.h), asked as the page asks it, must give
// every action of the shared table (keys_table.tsv) that the native tests read too.
//
//   node --no-experimental-fetch keys_test.js korvalo_web.js keys_table.tsv
'use strict';

const fs = require('fs');
const path = require('path');

const [modulePath, tablePath] = process.argv.slice(2);

function readTable(file) {
  return fs.readFileSync(file, 'utf8').split('\n')
    .filter(line => line !== '' && !line.startsWith('#'))
    .map(line => {
      const [key, control, action] = line.split('\t');
      return { key, control: control === '1', action: action === '-' ? '' : action };
    });
}

/// The page's own way of asking.
function keyAction(module, key, control) {
  const size = module.lengthBytesUTF8(key) + 1;
  const pointer = module._malloc(size);
  module.stringToUTF8(key, pointer, size);
  const name = module.UTF8ToString(module._korvalo_key_action(pointer, control ? 1 : 0));
  module._free(pointer);
  return name;
}

require(path.resolve(modulePath))().then(module => {
  const cases = readTable(tablePath);
  const failures = cases
    .filter(c => keyAction(module, c.key, c.control) !== c.action)
    .map(c => `${c.control ? 'Ctrl+' : ''}${c.key}: ${keyAction(module, c.key, c.control) || '-'}, expected ${c.action || '-'}`);
  if (cases.length < 20) failures.push(`only ${cases.length} keys in the table`);
  if (failures.length > 0) {
    console.error(failures.join('\n'));
    process.exit(1);
  }
  console.log(`${cases.length} keys act as the table says`);
}, error => {
  console.error(`the module did not load: ${error}`);
  process.exit(1);
});
