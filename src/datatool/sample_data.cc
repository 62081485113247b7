#include "datatool/sample_data.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <vector>

#include "datatool/csv_writer.h"

namespace qav {
namespace {

constexpr const char* kBuildings[] = {
    "Sant Jordi", "Montseny",  "Canigó",    "Les Acàcies", "Els Til·lers", "Mirador",
    "Bellavista", "Sol Ixent", "La Pineda", "Miramar",     "Pedraforca",   "Les Oliveres",
    "Can Ferrer", "Puigmal",   "Els Pins",  "La Ribera",
};
constexpr const char* kStreets[] = {
    "Major",     "de la Riera",    "Nou",         "de Sant Pere",  "de l'Església",
    "del Carme", "de Verdaguer",   "de la Font",  "del Mar",       "de Balmes",
    "d'Aragó",   "de Mallorca",    "de Provença", "de Girona",     "de la Creu",
    "del Rec",   "de Sant Antoni", "dels Horts",  "de Pau Claris", "de la Indústria",
};
constexpr const char* kAvenues[] = {
    "Diagonal",  "de Catalunya",  "Meridiana",         "de Roma",
    "de Sarrià", "del Paral·lel", "de la Generalitat", "de Pompeu Fabra",
};
constexpr const char* kSquares[] = {
    "de la Vila", "Major", "del Sol", "de Catalunya", "de l'Ajuntament", "del Mercat",
};
constexpr const char* kPassages[] = {"de Permanyer", "Mallorca", "de la Pau", "del Col·legi"};
constexpr const char* kRamblas[] = {"Catalunya", "del Poblenou", "Nova", "de Sant Josep"};
constexpr const char* kRoads[] = {"de Vic", "de Manresa", "de Ribes", "de Sant Cugat"};

constexpr const char* kFirstNames[] = {
    "Jordi",     "Núria",    "Montserrat", "Josep",  "Marta",     "Pere",      "Anna",    "Joan",
    "Laia",      "Marc",     "Mireia",     "Xavier", "Roser",     "Jaume",     "Mercè",   "Oriol",
    "Glòria",    "Enric",    "Carme",      "Pau",    "Neus",      "Arnau",     "Aina",    "Ramon",
    "Gemma",     "Francesc", "Teresa",     "Sergi",  "Elisenda",  "Albert",    "Queralt", "Lluís",
    "Meritxell", "Ferran",   "Agnès",      "Òscar",  "Judit",     "Martí",     "Dolors",  "Guillem",
    "Berta",     "Àlex",     "Llorenç",    "Lluïsa", "Marcel·la", "Marcel·lí", "Eulàlia", "Joaquim",
    "Rosa",      "Miquel",
};
constexpr const char* kSurnames[] = {
    "Puig",     "Ferrer",   "Vila",    "Soler",     "Serra",   "Font",    "Roca",     "Pujol",
    "Vidal",    "Casals",   "Mas",     "Riera",     "Camps",   "Bosch",   "Sala",     "Costa",
    "Martí",    "Ribas",    "Coll",    "Prat",      "Torrent", "Canals",  "Batlle",   "Castells",
    "Comas",    "Domènech", "Farré",   "Gispert",   "Llull",   "Mestres", "Oliveras", "Planas",
    "Rovira",   "Sabaté",   "Tarragó", "Vallès",    "Roig",    "Bonet",   "Cardona",  "Morell",
    "Grau",     "Sunyer",   "Ventura", "Capdevila", "Cortès",  "Bellver", "Solé",     "Cerdà",
    "Fàbregas", "Vilalta",  "Miró",    "Turull",    "Cabanes", "Llobet",  "Espinàs",  "Güell",
};
constexpr const char* kCompanies[] = {"Immobiliària", "Inversions", "Promocions", "Gestió"};
constexpr const char* kCompanyForms[] = {", SL", ", SA"};

// SplitMix64: spreads the seed and the stream numbers over all the bits.
uint64_t Mix(uint64_t a, uint64_t b, uint64_t c) {
  uint64_t x = a * 0x9E3779B97F4A7C15ull + b;
  for (int round = 0; round < 2; ++round) {
    x += 0x9E3779B97F4A7C15ull + c;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    x ^= x >> 31;
  }
  return x;
}

class Random {
 public:
  explicit Random(uint64_t seed) : engine_(static_cast<uint32_t>(seed ^ (seed >> 32))) {}

  // 0 to n - 1.
  uint32_t Below(uint32_t n) {
    return static_cast<uint32_t>((static_cast<uint64_t>(engine_() & 0xFFFFFFFFu) * n) >> 32);
  }
  // From lo to hi, both included.
  int Between(int lo, int hi) {
    return lo + static_cast<int>(Below(static_cast<uint32_t>(hi - lo + 1)));
  }
  bool PerThousand(uint32_t n) { return Below(1000) < n; }
  template <size_t N>
  const char* Pick(const char* const (&list)[N]) {
    return list[Below(static_cast<uint32_t>(N))];
  }

 private:
  std::mt19937 engine_;
};

// Characters of a UTF-8 text.
size_t Characters(const std::string& text) {
  size_t n = 0;
  for (unsigned char c : text) n += (c & 0xC0) != 0x80;
  return n;
}

constexpr size_t kNameWidth = 30;

std::string PropertyName(Random& r) {
  // One draw per statement: the order in which the operands of one
  // expression are evaluated is not fixed, and the draws must come in a
  // fixed order.
  const uint32_t kind = r.Below(100);
  const int street_number = r.Between(1, 180);
  const bool high_number = r.Below(4) == 0;
  const std::string number = ", " + std::to_string(street_number * (high_number ? 2 : 1));
  std::string name;
  if (kind < 20) {
    name = std::string("Edifici ") + r.Pick(kBuildings);
  } else if (kind < 60) {
    name = std::string("C. ") + r.Pick(kStreets) + number;
  } else if (kind < 75) {
    name = std::string("Av. ") + r.Pick(kAvenues) + number;
  } else if (kind < 83) {
    name = std::string("Pl. ") + r.Pick(kSquares) + number;
  } else if (kind < 90) {
    name = std::string("Ptge. ") + r.Pick(kPassages) + number;
  } else if (kind < 95) {
    name = std::string("Rbla. ") + r.Pick(kRamblas) + number;
  } else {
    name = std::string("Ctra. ") + r.Pick(kRoads) + number;
  }
  return name;
}

std::string OwnerName(Random& r) {
  if (r.PerThousand(40)) {
    const std::string kind = r.Pick(kCompanies);
    const std::string surname = r.Pick(kSurnames);
    return kind + " " + surname + r.Pick(kCompanyForms);
  }
  const std::string first = r.Pick(kFirstNames);
  const std::string one = r.Pick(kSurnames);
  const std::string two = r.Pick(kSurnames);
  const bool with_i = r.Below(2) == 0;
  for (const std::string& name : {first + " " + one + (with_i ? " i " : " ") + two,
                                  first + " " + one + " " + two, first + " " + one}) {
    if (Characters(name) <= kNameWidth) return name;
  }
  return first;
}

std::string Floor(int floor) {
  switch (floor) {
    case 1:
      return "1r";
    case 2:
      return "2n";
    case 3:
      return "3r";
    case 4:
      return "4t";
    default:
      return std::to_string(floor) + "è";
  }
}

// The apartments of a building of `units` homes and shops, from the street
// up: shops or ground-floor flats, maybe a mezzanine, the floors, the attic.
std::vector<std::string> Apartments(Random& r, int units) {
  const int doors = r.Between(2, 4);
  const bool shops = r.PerThousand(300);
  const bool mezzanine = r.PerThousand(400);
  const bool attic = units >= 6;
  const bool over_attic = units >= 16 && r.PerThousand(300);
  const int top = (attic ? 1 : 0) + (over_attic ? 1 : 0);
  std::vector<std::string> list;
  auto room = [&] { return static_cast<int>(list.size()) < units - top; };
  if (units >= 4) {
    for (int d = 1; d <= (units >= 10 ? 2 : 1) && room(); ++d) {
      list.push_back(shops ? "Local " + std::to_string(d) : "Baixos " + std::to_string(d) + "a");
    }
    for (int d = 1; mezzanine && d <= 2 && room(); ++d)
      list.push_back("Entl. " + std::to_string(d) + "a");
  }
  for (int floor = 1; room(); ++floor) {
    for (int d = 1; d <= doors && room(); ++d) {
      list.push_back(Floor(floor) + " " + std::to_string(d) + "a");
    }
  }
  if (attic) list.push_back("Àtic");
  if (over_attic) list.push_back("Sobreàtic");
  return list;
}

std::string Date(int year, int month, int day) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
  return text;
}

struct Streams {
  CsvWriter properties, owners, receipts;
};

void WriteReceipts(const SampleOptions& o, int property, int owner, int quota, bool debtor,
                   Streams& out) {
  Random r(Mix(o.seed, static_cast<uint64_t>(property), static_cast<uint64_t>(owner)));
  const std::string p = std::to_string(property), n = std::to_string(owner);
  for (int m = 0; m < o.receipts; ++m) {
    const int index = o.start_month - 1 + m;
    const int year = o.start_year + index / 12;
    const int month = index % 12 + 1;
    const bool recent = m >= o.receipts - 2;
    const uint32_t pending = debtor ? 350 : recent ? 250 : 30;
    std::string state, collected;
    if (r.PerThousand(pending)) {
      // An older unpaid receipt was often a direct debit the bank returned.
      state = !recent && r.Below(3) == 0 ? "D" : "P";
    } else if (r.Below(100) < 4) {
      state = "I";  // paid in at the office, later
      collected = Date(year, month, 1 + r.Between(5, 24));
    } else {
      state = "C";
      collected = Date(year, month, 1 + r.Between(2, 9));
    }
    out.receipts.WriteRow({p, n, Date(year, month, 1), std::to_string(month), collected,
                           std::to_string(quota), state});
  }
}

void WriteProperty(const SampleOptions& o, int property, Streams& out) {
  Random r(Mix(o.seed, static_cast<uint64_t>(property), 0));
  const std::string code = std::to_string(property);
  out.properties.WriteRow({code, PropertyName(r)});
  const int base = r.Between(5500, 14000);  // the building's usual monthly quota, cents
  const std::vector<std::string> apartments = Apartments(r, o.owners);
  for (int owner = 1; owner <= o.owners; ++owner) {
    const std::string& apartment = apartments[static_cast<size_t>(owner - 1)];
    int share = r.Between(75, 150);
    if (apartment.rfind("Local", 0) == 0) share = share * 18 / 10;
    if (apartment == "Àtic" || apartment == "Sobreàtic") share = share * 13 / 10;
    int quota = base * share / 100 / 5 * 5;
    quota = std::min(25000, std::max(4000, quota));
    const bool debtor = r.PerThousand(50);
    out.owners.WriteRow({code, std::to_string(owner), OwnerName(r), apartment});
    WriteReceipts(o, property, owner, quota, debtor, out);
  }
}

}  // namespace

ToolStatus CheckSampleOptions(const SampleOptions& o) {
  if (o.properties < 0 || o.properties > 9999) {
    return ToolStatus::Error("--properties must be from 0 to 9999");
  }
  if (o.owners < 0 || o.owners > 9999) return ToolStatus::Error("--owners must be from 0 to 9999");
  if (o.receipts < 0 || o.receipts > 1200) {
    return ToolStatus::Error("--receipts must be from 0 to 1200");
  }
  if (o.start_year < 1 || o.start_month < 1 || o.start_month > 12 ||
      o.start_year * 12 + o.start_month - 1 + o.receipts > 9999 * 12 + 12) {
    return ToolStatus::Error(
        "--start must be a month YYYY-MM that leaves the receipts in years up to 9999");
  }
  return ToolStatus();
}

ToolStatus WriteSample(const SampleOptions& options, std::FILE* properties, std::FILE* owners,
                       std::FILE* receipts) {
  if (ToolStatus status = CheckSampleOptions(options); !status.ok()) return status;
  Streams out{CsvWriter(properties), CsvWriter(owners), CsvWriter(receipts)};
  out.properties.WriteRow({"code", "name"});
  out.owners.WriteRow({"property", "owner", "name", "apartment"});
  out.receipts.WriteRow(
      {"property", "owner", "issued", "sequence", "collected", "amount_cents", "state"});
  for (int property = 1; property <= options.properties; ++property) {
    WriteProperty(options, property, out);
  }
  const bool written = out.properties.Finish() & out.owners.Finish() & out.receipts.Finish();
  if (!written) return ToolStatus::Error("cannot write the sample files: output failed");
  return ToolStatus();
}

ToolStatus WriteSampleFiles(const SampleOptions& options, const std::string& folder) {
  if (ToolStatus status = CheckSampleOptions(options); !status.ok()) return status;
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error)
    return ToolStatus::Error("cannot create the folder " + folder + ": " + error.message());
  struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  std::unique_ptr<std::FILE, Closer> files[3];
  const char* names[3] = {"properties.csv", "owners.csv", "receipts.csv"};
  for (int i = 0; i < 3; ++i) {
    const std::string path = (std::filesystem::path(folder) / names[i]).string();
    files[i].reset(std::fopen(path.c_str(), "wb"));
    if (!files[i]) return ToolStatus::Error("cannot write " + path + ": " + std::strerror(errno));
  }
  ToolStatus status = WriteSample(options, files[0].get(), files[1].get(), files[2].get());
  for (int i = 0; i < 3; ++i) {
    if (std::fclose(files[i].release()) != 0 && status.ok()) {
      status =
          ToolStatus::Error(std::string("cannot write ") + names[i] + ": " + std::strerror(errno));
    }
  }
  return status;
}

}  // namespace qav
