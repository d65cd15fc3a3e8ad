// <<<<Chapter one>>>>
// <<<Section [kword]>>>
// <<<-Hidden>>>
class Shape {
public:
  virtual ~Shape();
  int area() const;
};
int Shape::area() const { return 0; }
namespace ns { template <class T> T id(T v) { return v; } }
